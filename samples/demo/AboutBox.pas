unit AboutBox;

interface

uses
  Forms, StdCtrls, Helpers;

type
  TdlgAbout = class(TForm)
    lblTitle: TLabel;
    btnOK: TButton;
  end;

procedure ShowAbout;
implementation

uses
  System.SysUtils, MainForm;

{$R *.DFM}

(*
  A parenthesis-star comment over several lines:
  { braces inside it do not nest }
  // and neither do slashes

*)

procedure ShowAbout;var
  Dialog: TdlgAbout;
begin
  Dialog := TdlgAbout.Create(nil);
  try
    Dialog.lblTitle.Caption := 'Ravelin demo // version 1';
    Dialog.ShowModal;
  finally
    Dialog.Free; { closed on the next line
  } end;
end;

end.
