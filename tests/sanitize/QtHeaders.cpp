// Compiles the Qt headers that every file of the sanitizer build shares.
