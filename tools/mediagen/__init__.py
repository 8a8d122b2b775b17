"""Builders for every picture, sound and the music of Quorvane."""
