unit B;
interface
uses A;
implementation
uses Ring;
end.
