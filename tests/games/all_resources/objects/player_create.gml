hspeed_wanted = 0;
drawn = 0;
