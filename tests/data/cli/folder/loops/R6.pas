unit R6;
interface
uses R7;
implementation
end.
