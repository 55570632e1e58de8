// The editor talks to the encoder attached as the keyboard.
