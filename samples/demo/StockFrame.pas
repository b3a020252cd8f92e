unit StockFrame;

{ A frame with the fields of one stock item, placed inline on the stock editor. }

interface

uses
  Classes, Forms, Controls, StdCtrls;

type
  TfraStock = class(TFrame)
    lblName: TLabel;
    edtName: TEdit;
    edtCount: TEdit;
  end;

implementation

{$R *.dfm}

end.
