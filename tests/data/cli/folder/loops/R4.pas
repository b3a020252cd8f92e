unit R4;
interface
uses R5;
implementation
end.
