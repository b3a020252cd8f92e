unit Acme.Grid.Base;

interface

uses Classes, Controls;

implementation

end.
