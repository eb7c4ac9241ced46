#pragma once

// The process's own gate on the network, beneath the web engine. While it is closed, no socket
// of this process connects to or sends a datagram to an internet address (IPv4 or IPv6), and no
// host name is looked up: every attempt fails at once as if the network were unreachable.
// Local sockets (the display, the session bus) are not touched.
//
// It works by defining the C library's socket entry points in this program, which the dynamic
// linker then gives to every library the program loads, the engine's network stack among them;
// each passes the call on to the C library unless the gate is closed. No page script can race
// it: it holds for every frame, every request and every peer connection the engine makes.
void SetNetworkClosed(bool closed);
bool NetworkClosed();
