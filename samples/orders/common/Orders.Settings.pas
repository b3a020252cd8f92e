unit Orders.Settings;

interface

{$I Orders.inc}

uses
  {$IFDEF ORDERS_MODERN_RTL} IOUtils, {$ENDIF}
  IniFiles, Orders.Model;

function SettingsFolder: string;

implementation

function SettingsFolder: string;
begin
  Result := '';
end;

end.
