// placeholder until fixtures exist
