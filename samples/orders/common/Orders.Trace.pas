unit Orders.Trace;

interface

uses SysUtils, Orders.Settings;

procedure Trace(const Text: string);

implementation

procedure Trace(const Text: string);
begin
end;

end.
