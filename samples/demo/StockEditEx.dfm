inherited frmStockEditEx: TfrmStockEditEx
  Caption = 'Stock item with price'
  ClientHeight = 312
  PixelsPerInch = 96
  TextHeight = 13
  inherited fraStock: TfraStock
    inherited edtCount: TEdit
      Text = '1'
    end
  end
  inherited memNotes: TMemo
    Top = 112
  end
  inherited sbrStatus: TStatusBar [2]
    Top = 293
  end
  object edtPrice: TEdit
    Left = 72
    Top = 80
    Width = 80
    TabOrder = 3
    Text = '0.00'
  end
end
