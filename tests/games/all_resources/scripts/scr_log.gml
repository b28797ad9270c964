show_debug_message("log: " + string(argument0));
