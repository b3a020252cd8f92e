unit Storage.Windows;

{ The order store for Win64. }

interface

uses Winapi.Windows, SysUtils, Orders.Model;

implementation

end.
