// The coin is the other instance of the collision.
score += 10;
with (other) instance_destroy();
