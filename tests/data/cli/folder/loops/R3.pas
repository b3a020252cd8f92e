unit R3;
interface
uses R4;
implementation
end.
