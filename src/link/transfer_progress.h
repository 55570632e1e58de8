// Progress texts of the read and write transfers, shown in the progress window.
#pragma once

class LinkPlatform;

// verb is "Reading" or "Writing".
void ShowConfigProgress(LinkPlatform& platform, const char* verb, int position);
void ShowDataProgress(LinkPlatform& platform, const char* verb, int percent);
