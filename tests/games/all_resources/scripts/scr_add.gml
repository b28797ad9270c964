// Adds its two arguments.
return argument0 + argument1;
