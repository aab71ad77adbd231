#pragma once

// The kind of a message the learner is shown, told by the icon beside its text.
enum class MessageIcon { None, Information, Warning };
