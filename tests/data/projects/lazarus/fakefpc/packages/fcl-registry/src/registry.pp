unit Registry;
interface
implementation
end.
