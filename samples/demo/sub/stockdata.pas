unit StockData;interfaceuses  Classes;type  TStockItem = record    Name: string;    Count: Integer;  end;function ItemCount: Integer;implementationuses Helpers;var  Items: array of TStockItem; // filled at run timefunction ItemCount: Integer;begin  Result := Length(Items) div 1; (* a division: / *)
end;

end.
