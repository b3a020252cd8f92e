unit OrderMain;

interface

{$I Orders.inc}

uses
  Winapi.Windows, Messages, SysUtils, Classes, Controls, Forms, Dialogs, ComCtrls,
  Grid.Orders,
  Orders.Model;

type
  TfrmOrderMain = class(TForm)
    lvOrders: TListView;
    procedure FormShow(Sender: TObject);
  end;

var
  frmOrderMain: TfrmOrderMain;

implementation

uses
  {$IFDEF ORDERS_TRACE} Orders.Trace, {$ENDIF}
  OrderEdit, OrderData;

{$R *.dfm}

procedure TfrmOrderMain.FormShow(Sender: TObject);
begin
  dmOrders.Open;
end;

end.
