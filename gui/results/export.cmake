# Defines its library when its sources exist.
