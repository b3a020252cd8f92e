object frmStockEdit: TfrmStockEdit
  Left = 260
  Top = 140
  BorderStyle = bsDialog
  Caption = 'Stock item'
  ClientHeight = 280
  ClientWidth = 336
  Font.Style = [fsBold]
  Hint = 
    'This window edits one stock item: its name, its count and the note' +
    's that go with it. Press Save to keep them.'
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  inline fraStock: TfraStock
    Left = 8
    Top = 8
    Width = 320
    Height = 64
    TabOrder = 0
  end
  object memNotes: TMemo
    Left = 8
    Top = 80
    Width = 320
    Height = 120
    Lines.Strings = (
      'First note'
      'It'#39's the second note'
      '')
    TabOrder = 1
  end
  object btnSave: TSpeedButton
    Left = 8
    Top = 208
    Width = 80
    Height = 25
    Caption = '&Save'
    Glyph.Data = {
      76010000424D7601000000000000760000002800000020000000100000000100
      04000000000000010000120B0000120B00001000000000000000000000000000
      800000800000008080008000000080008000808000007F7F7F00BFBFBF000000
      FF0000FF000000FFFF00FF000000FF00FF00FFFF0000FFFFFF00}
    NumGlyphs = 2
    OnClick = btnSaveClick
  end
  object sbrStatus: TStatusBar
    Left = 0
    Top = 261
    Width = 336
    Height = 19
    Panels = <
      item
        Text = 'Ready'
        Width = 120
      end
      item
        Width = 50
      end>
    SimplePanel = False
  end
end
