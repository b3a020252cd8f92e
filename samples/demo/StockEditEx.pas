unit StockEditEx;

{ The stock item editor with a price: a form inherited from the plain editor. }

interface

uses
  Classes, Forms, Controls, StdCtrls,
  StockEdit;

type
  TfrmStockEditEx = class(TfrmStockEdit)
    edtPrice: TEdit;
  end;

implementation

{$R *.dfm}

end.
