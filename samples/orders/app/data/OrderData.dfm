object dmOrders: TdmOrders
  Height = 150
  Width = 215
end
