' A late-bound client: creates the plug-in by its ProgIDs and reports what it sees.
Option Explicit
Dim plugIn, versioned
Set plugIn = CreateObject("KetraVerifierPlugIn.KxfVerifierPlugIn")
Set versioned = CreateObject("KetraVerifierPlugIn.KxfVerifierPlugIn.5")
WScript.Echo "type: " & TypeName(plugIn) & " / " & TypeName(versioned)

On Error Resume Next
plugIn.Verify Nothing, Nothing
WScript.Echo "late-bound Verify: " & Err.Number
On Error GoTo 0

WScript.Echo "done"
WScript.Quit 0
