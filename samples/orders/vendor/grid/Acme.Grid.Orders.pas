unit Acme.Grid.Orders;

{ A grid of orders from a component vendor, found through the unit scope name Acme. }

interface

uses Classes, Controls, Acme.Grid.Base;

implementation

end.
