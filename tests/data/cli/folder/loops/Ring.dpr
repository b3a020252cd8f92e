program Ring;
uses A, R1, S;
begin
end.
