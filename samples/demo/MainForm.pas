unit MainForm;

{ The main window of the demo: a stock list and two buttons.
  This comment runs over several lines,
  one of them empty. }

interface

{$I Demo.inc}

uses
  System.SysUtils, Classes, Forms, Controls, StdCtrls,
  StockData;

type
  TfrmMain = class(TForm)
    lstStock: TListBox;
    btnAdd: TButton;
    btnAbout: TButton;
    procedure btnAddClick(Sender: TObject); // adds one item
    procedure btnAboutClick(Sender: TObject);
  private    FCount: Integer; (* items added so far *)
  end;

var
  frmMain: TfrmMain;

implementation

uses
  AboutBox, Helpers;

{$R *.dfm}

procedure TfrmMain.btnAddClick(Sender: TObject);
  {}
  function NextName: string;
  begin
    Result := 'Item ' + IntToStr(FCount + 1);
  end;
  {}
begin
  Inc(FCount);
  lstStock.Items.Add(NextName + ' {not a comment}');
  lstStock.Items.Add('it''s (* still text *)'); // a real comment
end;

procedure TfrmMain.btnAboutClick(Sender: TObject);
begin
  ShowAbout; {$IFDEF DEMO_TRACE} Trace('about'); {$ENDIF}
end;

end.
