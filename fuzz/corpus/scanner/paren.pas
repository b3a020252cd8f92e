(* open
* ) *