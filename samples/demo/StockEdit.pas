unit StockEdit;

{ The stock item editor: the inline stock frame, notes, a status bar and a glyph button. }

interface

uses
  Classes, Forms, Controls, StdCtrls, ComCtrls, Buttons,
  StockFrame;

type
  TfrmStockEdit = class(TForm)
    fraStock: TfraStock;
    memNotes: TMemo;
    sbrStatus: TStatusBar;
    btnSave: TSpeedButton;
    procedure btnSaveClick(Sender: TObject);
  end;

implementation

{$R *.dfm}

procedure TfrmStockEdit.btnSaveClick(Sender: TObject);
begin
  sbrStatus.Panels[0].Text := 'Saved';
end;

end.
