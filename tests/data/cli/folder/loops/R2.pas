unit R2;
interface
uses R3;
implementation
end.
