object frmOrderEdit: TfrmOrderEdit
  Caption = 'Order'
  object edtCustomer: TEdit
    Left = 8
    Top = 8
  end
  object btnSave: TButton
    Left = 8
    Top = 40
    Caption = 'Save'
  end
end
