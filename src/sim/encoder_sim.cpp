// Device model of the encoder.
