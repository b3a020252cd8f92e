unit Unit2;
interface
implementation
end.
