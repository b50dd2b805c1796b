// placeholder: filled by the module's first implementation
