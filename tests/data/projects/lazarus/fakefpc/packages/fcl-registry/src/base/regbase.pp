unit RegBase;
interface
implementation
end.
