// Messages of the editor that rq57cfg gives in the same words.
#pragma once

// Files
constexpr char kOpenErrorMessage[] = "Error opening the file";
constexpr char kInvalidFileMessage[] = "Invalid configuration file";
constexpr char kSaveErrorMessage[] = "Error saving the file";
// printf format with the pin's letter.
constexpr char kSharedPinFormat[] = "Error: Pin %c is used for multiple scan lines";

// Transfers
constexpr char kWrittenMessage[] = "The configuration was successfully saved to the RQ57";
constexpr char kReadMessage[] = "The configuration was successfully read from the RQ57";
constexpr char kNotFoundMessage[] = "The RQ57 was not found";
constexpr char kWriteErrorMessage[] = "Error while writing to the RQ57";
constexpr char kReadErrorMessage[] = "Error while reading from the RQ57";
constexpr char kInvalidConfigurationMessage[] = "Invalid configuration";
// A run found the record a killed transfer left, and recovered it.
constexpr char kRecoveredMessage[] =
    "The keyboard delay and speed were put back after a transfer with the RQ57 was interrupted.";
// printf format with the result number.
constexpr char kUnknownErrorFormat[] = "Unknown error (%d)";
