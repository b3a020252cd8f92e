unit DemoBinary;

{ A dialog whose form file is stored in the binary resource format. }

interface

uses
  Classes, Forms, Controls, StdCtrls, ExtCtrls, ComCtrls, Buttons;

type
  TfrmBinary = class(TForm)
    lblTitle: TLabel;
    memNotes: TMemo;
    btnGlyph: TSpeedButton;
    sbrMain: TStatusBar;
    tmrTick: TTimer;
  end;

implementation

{$R *.DFM}

end.
