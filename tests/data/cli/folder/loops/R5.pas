unit R5;
interface
uses R6;
implementation
end.
