unit Beta;
end.
