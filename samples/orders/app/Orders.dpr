program Orders;

{ Ravelin's sample of a modern project: units named with their paths, unit scope names, a
  search path per platform and conditional uses clauses. }

{$I Orders.inc}

uses
  Vcl.Forms,
  OrderMain in 'forms\OrderMain.pas' {frmOrderMain},
  OrderEdit in 'forms\OrderEdit.pas' {frmOrderEdit},
  OrderData in 'data\OrderData.pas' {dmOrders: TDataModule},
  Orders.Model in '..\common\Orders.Model.pas',
  Orders.Settings in '..\common\Orders.Settings.pas';

{$R *.res}

begin
  Application.Initialize;
  Application.MainFormOnTaskbar := True;
  Application.CreateForm(TdmOrders, dmOrders);
  Application.CreateForm(TfrmOrderMain, frmOrderMain);
  Application.Run;
end.
