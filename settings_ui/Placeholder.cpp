// Filled in as the folder gains its classes.
