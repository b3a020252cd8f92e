unit both;
