unit R7;
interface
implementation
uses R1, SysUtils;
end.
