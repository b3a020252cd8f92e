program Demo;
uses
  Forms,
  Unit1 in 'Unit1.pas',
  Helper;
begin
end.
