unit Helpers;{$I Demo.inc}interfacefunction Percent(Part, Whole: Integer): Integer;function Quote(const S: string): string;implementation
uses
  System.SysUtils, StockData;

function Percent(Part, Whole: Integer): Integer;
begin
  if Whole = 0 then
    Result := 0
  else
    Result := Part * 100 div Whole; { whole numbers only }
end;

function Quote(const S: string): string;
begin
  Result := '''' + S + ''''; // doubled apostrophes
end;
{}
end.
