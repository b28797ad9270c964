#define util_init
global.util_ready = 1;
#define util_twice
return argument0 * 2;
#define util_greet
return argument0 + string(argument1);
