unit one;
