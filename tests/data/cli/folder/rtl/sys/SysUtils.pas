unit SysUtils;
{ the runtime library }
interface
implementation
end.
