"""The simulator's control placeholder."""
