unit two;
