object frmOrderMain: TfrmOrderMain
  Left = 0
  Top = 0
  Caption = 'Orders'
  ClientHeight = 480
  ClientWidth = 640
  OnShow = FormShow
  object lvOrders: TListView
    Left = 0
    Top = 0
    Width = 640
    Height = 480
    Align = alClient
    ViewStyle = vsReport
  end
end
