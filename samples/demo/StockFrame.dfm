object fraStock: TfraStock
  Left = 0
  Top = 0
  Width = 320
  Height = 64
  TabOrder = 0
  object lblName: TLabel
    Left = 8
    Top = 12
    Caption = 'Name:'
  end
  object edtName: TEdit
    Left = 64
    Top = 8
    Width = 240
    TabOrder = 0
  end
  object edtCount: TEdit
    Left = 64
    Top = 36
    Width = 80
    TabOrder = 1
    Text = '0'
  end
end
