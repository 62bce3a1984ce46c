# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""What the Python tests and the desktop matrix share: a virtual X server
(xserver) and a private session of folders and a bus (session)."""
