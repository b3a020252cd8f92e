unit Storage.Windows;

{ The order store for Win32. }

interface

uses Winapi.Windows, SysUtils, Orders.Model;

implementation

end.
