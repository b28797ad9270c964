global.lib_second = 2;
