unit Orders.Model;

interface

uses
  SysUtils, Generics.Collections;

type
  TOrder = class
    Customer: string;
    Total: Currency;
  end;

  TOrders = TObjectList<TOrder>;

implementation

end.
