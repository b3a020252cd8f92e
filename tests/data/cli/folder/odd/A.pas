a;
