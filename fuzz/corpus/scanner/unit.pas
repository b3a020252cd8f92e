unit Sample;

interface

uses SysUtils, Classes,
  Unit1 in 'sub\Unit1.pas' {Form1};

const
  Msg = 'It''s'#13#10'ok'^M;
  Hex = $FF; R = 1.5E-3; S = 2e10;

implementation

(* old
   code *)
procedure P(var a: array of Integer);
begin
  a[1..2] := (.1.); // note
  if x <> y then x := y + 1 else x := x / 2;
end;

end.
