unit R1;
interface
uses R2;
implementation
end.
