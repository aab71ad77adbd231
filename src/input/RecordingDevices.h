#pragma once

// Whether the sound server, or where none runs the sound card, has a default recording device:
// asked from the server's list of devices, so that nothing is recorded and the desktop shows no
// microphone in use. A server that does not answer within seconds is taken to have none.
bool recordingDeviceListed();
