object Both: TForm
end
