// Bringing a receiver that speaks SiRF binary back to NMEA output, and the repair sequence.
#pragma once

#include <cstdint>

enum NmeaReturn { OpenFailed, Switched, NotSwitched };

NmeaReturn ReturnToNmea(uint32_t baud);
// Up to two attempts at 38400, then up to two at 57600; releases everything and sets workerDone.
bool RunRepair();
// Closes GpsPort, loaderFile, firmwareFile and the CSerialLink connection, in that order.
void ReleasePortsAndFiles();
