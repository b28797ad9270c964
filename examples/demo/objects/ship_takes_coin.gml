// The coin is the other instance of the collision.
score += 10;
sound_play(snd_coin);
with (other) instance_destroy();
