"""Type stubs of the kolmar package."""
