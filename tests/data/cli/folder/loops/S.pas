unit S;
interface
implementation
uses S;
end.
