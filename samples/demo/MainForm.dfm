object frmMain: TfrmMain
  Left = 200
  Top = 120
  Caption = 'Ravelin demo'
  ClientHeight = 300
  ClientWidth = 400
  object lstStock: TListBox
    Left = 8
    Top = 8
    Width = 300
    Height = 280
  end
  object btnAdd: TButton
    Left = 316
    Top = 8
    Caption = '&Add'
    OnClick = btnAddClick
  end
  object btnAbout: TButton
    Left = 316
    Top = 40
    Caption = '&About'
    OnClick = btnAboutClick
  end
end
