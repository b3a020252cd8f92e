object dlgAbout: TdlgAbout
  Caption = 'About'
  ClientHeight = 120
  ClientWidth = 240
  object lblTitle: TLabel
    Caption = 'Ravelin demo'
  end
  object btnOK: TButton
    Caption = 'OK'
    ModalResult = 1
  end
end
