unit OrderEdit;

interface

uses
  SysUtils, Classes, Controls, Forms, StdCtrls,
  Orders.Model;

type
  TfrmOrderEdit = class(TForm)
    edtCustomer: TEdit;
    btnSave: TButton;
  end;

implementation

uses
  OrderData, Orders.Settings;

{$R *.dfm}

end.
