b;
// c
