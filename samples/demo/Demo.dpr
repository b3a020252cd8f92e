program Demo;

{ Ravelin's demo project: a tiny stock list with an About box. }

{$I Demo.inc}

uses
  System.SysUtils,
  Forms,
  MainForm in 'MainForm.pas' {frmMain},
  AboutBox in 'AboutBox.pas' {dlgAbout},
  Helpers in 'Helpers.pas',
  StockFrame in 'StockFrame.pas' {fraStock: TFrame},
  StockEdit in 'StockEdit.pas' {frmStockEdit},
  StockEditEx in 'stockeditex.pas' {frmStockEditEx},
  DemoBinary in 'DemoBinary.pas' {frmBinary},
  StockData in 'Sub\StockData.pas';

{$R *.res}

begin
  Application.Initialize;
  Application.Title := 'Ravelin demo (* not a comment *)';
  Application.CreateForm(TfrmMain, frmMain);
  Application.Run;
end.
