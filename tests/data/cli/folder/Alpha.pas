unit Alpha;

{ note }
end. // done
