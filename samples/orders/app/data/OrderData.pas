unit OrderData;

interface

uses
  SysUtils, Classes, DB,
  {$IFDEF MSWINDOWS} Storage.Windows, {$ELSE} Storage.Posix, {$ENDIF}
  Orders.Model;

type
  TdmOrders = class(TDataModule)
  public
    procedure Open;
  end;

var
  dmOrders: TdmOrders;

implementation

uses Orders.Settings;

{$R *.dfm}

procedure TdmOrders.Open;
begin
end;

end.
