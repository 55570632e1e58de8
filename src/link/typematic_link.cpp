// Typematic channel.
