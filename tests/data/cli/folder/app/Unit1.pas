unit Unit1;
interface
uses SysUtils, Helper;
implementation
uses Windows, Unit2;
end.
