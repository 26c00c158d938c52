#pragma once
// System information tool lookup (placeholder).
