// The editor talks to the simulated encoder.
