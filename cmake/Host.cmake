# Native build of the rules that need no Windows service.
