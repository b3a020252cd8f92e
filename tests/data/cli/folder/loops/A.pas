unit A;
interface
uses B;
implementation
end.
